#ifndef UI_RESOURCES_H_
#define UI_RESOURCES_H_

#include <memory>
#include <string>

#include "ui/package.h"

namespace ui {

// The process-wide skin package windows build their layouts from. Thread-safe.
void SetResourcePackage(std::shared_ptr<Package> pkg, std::string name = "membuffer");
// nullptr when none is set.
std::shared_ptr<Package> ResourcePackage();
// The name given with the package (for logs); empty when none is set.
std::string ResourcePackageName();

}  // namespace ui

#endif  // UI_RESOURCES_H_
