// A scratch folder per test and small file helpers for the file-format tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "slitform-io-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()))
            path = name.data();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const std::string& name) const { return path + "/" + name; }
    // Names of the entries in the folder.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::string path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An error names the file first and fits on one line.
inline ::testing::AssertionResult OneLineErrorNaming(const std::string& error,
                                                     const std::string& path) {
    if (error.rfind(path + ": ", 0) != 0)
        return ::testing::AssertionFailure() << "does not start with the file name: " << error;
    if (error.find('\n') != std::string::npos)
        return ::testing::AssertionFailure() << "has more than one line: " << error;
    for (char c : error)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return ::testing::AssertionFailure() << "holds a control character: " << error;
    if (error.size() <= path.size() + 2)
        return ::testing::AssertionFailure() << "says nothing after the file name";
    return ::testing::AssertionSuccess();
}
