#pragma once
// The error kinds of the program. Each carries the exact text the user sees;
// the GUI's error display shows what() (see widgets/error_display.h).

#include <stdexcept>
#include <string>
#include <utility>

// Base of every error the program raises on purpose.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A typed list was asked for an index outside 0..Count-1.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// A text is not a valid number ("'%s' is not a valid integer value", ...).
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A value would become infinite or no number: nothing is written.
class ENotFinite : public Exception {
public:
    using Exception::Exception;
};

// A file could not be opened: "Cannot open file %s".
class EFOpenError : public Exception {
public:
    explicit EFOpenError(const std::string& path) : Exception("Cannot open file " + path) {}
};

// A file that cannot be read or patched because it is not a regular file: a
// folder, a named pipe, a device, or a symbolic link where none is followed.
// Kind says which ("a symbolic link"); the text stays the open error's.
class ENotAFile : public EFOpenError {
public:
    ENotAFile(const std::string& path, std::string kind) : EFOpenError(path), Kind(std::move(kind)) {}
    std::string Kind;
};

// A file changed under the program: while it was being read (the bytes may
// mix two versions), or since the program read it (a write would put stale
// values into another program's file).
class EFileChanged : public Exception {
public:
    using Exception::Exception;
    static EFileChanged WhileRead(const std::string& path)
    {
        return EFileChanged("File " + path + " changed while it was being read; open it again");
    }
    static EFileChanged SinceRead(const std::string& path)
    {
        return EFileChanged("File " + path + " changed on disk since it was read");
    }
};

// The working copy is not a regular file of its own: "Cannot use the working
// copy <path>: it is a symbolic link".
class EWorkingCopyRefused : public Exception {
public:
    EWorkingCopyRefused(const std::string& path, const std::string& kind)
        : Exception("Cannot use the working copy " + path + ": it is " + kind)
    {
    }
};

// A file could not be created: "Cannot create file %s".
class EFCreateError : public Exception {
public:
    explicit EFCreateError(const std::string& path) : Exception("Cannot create file " + path) {}
};

// A write of several glows refused because the record of an earlier one
// that did not finish lies beside the file (glow_patch.h): the file may hold
// part of that write until it is opened again, which takes it back.
class EUnfinishedWrite : public Exception {
public:
    EUnfinishedWrite(const std::string& path, const std::string& record)
        : Exception("The file " + path + " has an unfinished write recorded in " + record +
                    "; nothing was written. Open it again to take that write back")
    {
    }
};

// Reading or writing an open file failed or moved fewer bytes than asked.
class EInOutError : public Exception {
public:
    using Exception::Exception;
    static EInOutError Read(const std::string& path) { return EInOutError("Cannot read file " + path); }
    static EInOutError Write(const std::string& path) { return EInOutError("Cannot write file " + path); }
};

// An OPT file whose offsets or counts point outside the file.
class EOptDamaged : public Exception {
public:
    using Exception::Exception;
};

// An OPT file too big for the reader's bounds: its model would hold too many
// items, or its node tables would lead the walk to too many nodes.
class EOptTooLarge : public Exception {
public:
    using Exception::Exception;
};
