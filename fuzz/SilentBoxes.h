#pragma once
// Message boxes for fuzz targets that drive the tool's logic: nobody is there to answer, so
// every box is taken as OK and every question as cancelled.

#include <string>

#include "app/MessageBoxes.h"

namespace ombrel::fuzz {

class SilentBoxes : public app::MessageBoxes {
  public:
    app::BoxAnswer messageBox(const std::string&, app::BoxButtons, app::BoxIcon,
                              const std::string&) override {
        return app::BoxAnswer::Ok;
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
