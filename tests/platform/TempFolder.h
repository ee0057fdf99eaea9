// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder, or a file in it, written the way the module writes paths: with backslashes.
    std::string windowsPath(const std::string& name = "") const;
    // Creates a file with this content.
    void write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path path_;
};
