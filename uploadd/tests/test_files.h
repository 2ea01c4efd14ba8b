// File and process helpers shared by the Windows tests and the benchmark.
#pragma once

#include <string>
#include <vector>

std::string ReadAll(const std::string &path);
void WriteAll(const std::string &path, const std::string &bytes);
// The names of the files (not folders) in a folder, sorted.
std::vector<std::string> FileNames(const std::string &folder);
// Deletes a folder with everything in it.
void RemoveTree(const std::string &path);

// Runs a bash command line as a native Linux program and waits, at most
// timeoutMs, for it to end. Under Wine a native process cannot be waited
// for through its handle, so the shell leaves the command's exit status in
// a file of a scratch folder, given by its Windows and its Linux path.
// Returns the exit status, or -1 when the command did not start or finish.
int RunNative(const std::string &command, const std::string &folder, const std::string &unixFolder,
              unsigned timeoutMs);
