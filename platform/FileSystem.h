#pragma once
// File-system services the program needs: the working directory, whether a
// file exists, splitting a path, and reading the head of a file. Paths are
// UTF-8 byte strings with '/' as the folder separator.
#include <cstddef>
#include <optional>
#include <string>

// The current working directory; empty when it cannot be determined.
std::string CurrentDirectory();

// True when a file (anything but a folder) exists at the path.
bool FileExists(const std::string& path);

// The folder part without its trailing separator ("" for a bare name, "/" for
// a name directly under the root).
std::string ExtractFileDir(const std::string& path);
// The name part after the last separator.
std::string ExtractFileName(const std::string& path);
// The name part from its last period on, the period included; empty when the
// name has no period.
std::string ExtractFileExt(const std::string& path);

// Reads at most maxBytes from the start of the file. Nothing when the file
// cannot be opened or read.
std::optional<std::string> ReadFileHead(const std::string& path, size_t maxBytes);

// Creates the folder and its missing parents. False when that fails or the
// path names something that is not a folder.
bool MakeFolders(const std::string& path);
