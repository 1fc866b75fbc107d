// A fresh folder under the system's temporary folder for one benchmark program.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kal::bench {

// The new folder's path with a trailing '/'.
inline std::string makeTempFolder(const char* prefix)
{
    std::string folder = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!::mkdtemp(folder.data()))
        std::abort();
    return folder + "/";
}

// Removed with everything in it at the end.
struct BenchFolder {
    std::string path;
    explicit BenchFolder(const char* prefix) : path(makeTempFolder(prefix)) { }
    explicit BenchFolder(std::string made) : path(std::move(made)) { }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    // Everything in it removed, for a fresh start between iterations.
    void empty() const
    {
        for (const auto& entry : std::filesystem::directory_iterator(path))
            std::filesystem::remove_all(entry.path());
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
};

} // namespace kal::bench
