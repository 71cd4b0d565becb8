#pragma once
// Faults at a chosen system call, in a child process: the system kills it (as
// suddenly as kill -9) the moment it writes at a given file offset, or every
// flush of one file fails as on a failing disk. Linux only (a seccomp
// filter): the tests that need one are left out elsewhere
// (NEG_HAVE_WRITE_FAULTS).

#ifdef __linux__
#define NEG_HAVE_WRITE_FAULTS 1

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Runs program with args in a child process that the system kills at its
// first write (pwrite) at offset of any file; true when it died so.
bool KilledAtWrite(int64_t offset, const std::string& program, const std::vector<std::string>& args);

// Runs work in a child process (forked: the caller must have no other
// threads) in which every fsync of the first file that work opens fails with
// EIO; returns work's result, or -1 when the child did not end normally.
int WithFailingFlushOfFirstFile(const std::function<int()>& work);

#endif
