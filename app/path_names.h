#pragma once
// File names between Qt and the system. Qt holds a name as text, the system
// as bytes, and on Linux those need not be UTF-8 at all: Qt's own decoding
// (QFile::decodeName) turns each such byte into U+FFFD, a name of no file, or
// of another file of a similar name. Here a byte that is no part of a UTF-8
// character travels in the text as the lone code unit U+DC00 + byte (as
// Python's "surrogateescape" does), which no real name holds; everything else
// goes through QFile::encodeName and decodeName. On Windows names are UTF-16
// already and reach the model as UTF-8, as its paths are.

#include <QString>
#include <string>

class QUrl;

// The bytes of path, as the model's file calls take them.
std::string PathBytes(const QString& path);
// A path of the system's, as text that PathBytes turns back into the same
// bytes.
QString PathText(const std::string& bytes);
// path made absolute against the current folder and cleaned of "." and
// "..", as QFileInfo::absoluteFilePath does, its bytes kept (Qt's own would
// decode the current folder and the name as UTF-8).
QString AbsolutePath(const QString& path);
// The local file that a file: URL names (a dropped file), its bytes kept;
// empty for any other URL.
QString LocalFileOf(const QUrl& url);
