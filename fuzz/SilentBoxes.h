#pragma once
// Message boxes for fuzz targets that drive the tool's logic: nobody is there to answer, so
// every box is taken as OK and every question as cancelled.

#include <string>

#include "core/MessageBoxes.h"

namespace ombrel::fuzz {

class SilentBoxes : public core::MessageBoxes {
  public:
    core::BoxAnswer messageBox(const std::string&, core::BoxButtons, core::BoxIcon,
                               const std::string&) override {
        return core::BoxAnswer::Ok;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string openFileName(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
        return {};
    }
};

}  // namespace ombrel::fuzz
