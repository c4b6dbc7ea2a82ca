// Keeps a fuzz target's file access inside its scratch folder. The runtime reaches files through the
// C library only (fopen, remove, rename, mkdir, unlink, opendir, mkstemp); the targets are linked
// with those calls wrapped, and while an input runs every path outside the folder is refused as the
// system refuses a forbidden one (EACCES), so that no input can read a device that never ends or
// write, rename or delete a file of the machine.
#pragma once
#include <string>

namespace rt::fuzz {

// The folder the guarded calls may use (an absolute path without a trailing '/').
void SandboxSetRoot(const std::string& root);
const std::string& SandboxRoot();

// Guarding is on between SandboxEnter and SandboxLeave (the fuzzer's own files are read and written
// outside that window).
void SandboxEnter();
void SandboxLeave();

// Whether an input created, changed or removed anything in the folder since the last call.
bool SandboxTakeWrites();

// Whether path (relative ones are taken from the current folder) lies inside the root.
bool SandboxAllows(const char* path);

}  // namespace rt::fuzz
