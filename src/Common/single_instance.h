#pragma once
// The process-wide single-instance mutex "QRB_Downloader_%d". Start-up takes
// it; start-up at exit, the auto-run flow before it starts a new copy, and
// the crash handler may release it. Whoever releases it first closes it;
// later releases do nothing.

#include <string>

// Creates the mutex initially owned. False when another process owns it.
bool AcquireSingleInstanceMutex(int downloaderId);

// Releases and closes the mutex if this process still holds it.
void ReleaseSingleInstanceMutex();

std::wstring SingleInstanceMutexName(int downloaderId);
