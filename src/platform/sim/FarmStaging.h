#pragma once
// A new farm is built in a staging folder beside its target and moved into place only once it
// is complete, so that a creation killed halfway never leaves a folder that later commands
// take for a farm: until the move, the target holds no farm.db.

#include <filesystem>

namespace ombrel::sim {

class FarmStaging {
  public:
    // Makes the staging folder for target (and target's parent folder when missing). Staging
    // folders that creations killed before they finished left beside target are removed.
    explicit FarmStaging(const std::filesystem::path& target);
    // Removes the staging folder unless it was placed.
    ~FarmStaging();
    FarmStaging(const FarmStaging&) = delete;
    FarmStaging& operator=(const FarmStaging&) = delete;

    const std::filesystem::path& dir() const { return staging_; }

    // Moves the finished farm into target, farm.db last. The store must be closed. Throws
    // std::runtime_error when a farm appeared in target meanwhile.
    void place();

  private:
    std::filesystem::path target_;
    std::filesystem::path staging_;
    bool placed_ = false;
};

}  // namespace ombrel::sim
