// The smallest program a stub can be made from in the tests; its exit code
// shows that the copy with the skin section still runs.
int main() { return 42; }
