#include "path_names.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <filesystem>
#include <string_view>

namespace {

#ifndef _WIN32
constexpr char16_t EscapeBase = 0xDC00;

// The length of the UTF-8 character at the start of s; 0 when no valid one
// starts there (a stray byte, an overlong form, a surrogate, past U+10FFFF).
size_t Utf8Length(std::string_view s)
{
    const auto at = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || s.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i)
        if ((at(i) & 0xC0) != 0x80)
            return 0;
    const unsigned char second = at(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

bool IsEscape(QChar c)
{
    return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF;
}
#endif

}  // namespace

std::string PathBytes(const QString& path)
{
#ifdef _WIN32
    return path.toStdString();
#else
    std::string bytes;
    qsizetype from = 0;
    const auto flush = [&](qsizetype to) {
        bytes += QFile::encodeName(path.mid(from, to - from)).toStdString();
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        // An escape is a lone low surrogate: one after a high surrogate is
        // half of a real character.
        if (!IsEscape(path[i]) || (i > 0 && path[i - 1].isHighSurrogate()))
            continue;
        flush(i);
        bytes += static_cast<char>(path[i].unicode() - EscapeBase);
        from = i + 1;
    }
    flush(path.size());
    return bytes;
#endif
}

QString PathText(const std::string& bytes)
{
#ifdef _WIN32
    return QString::fromStdString(bytes);
#else
    QString text;
    size_t from = 0;
    const auto flush = [&](size_t to) {
        text += QFile::decodeName(QByteArray(bytes.data() + from, qsizetype(to - from)));
    };
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = Utf8Length(std::string_view(bytes).substr(i));
        if (length > 0) {
            i += length;
            continue;
        }
        flush(i);
        text += QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[i])));
        from = ++i;
    }
    flush(bytes.size());
    return text;
#endif
}

QString AbsolutePath(const QString& path)
{
#ifdef _WIN32
    return QFileInfo(path).absoluteFilePath();
#else
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(PathBytes(path), error);
    return error ? QFileInfo(path).absoluteFilePath() : PathText(absolute.lexically_normal().native());
#endif
}

QString LocalFileOf(const QUrl& url)
{
    if (!url.isLocalFile())
        return {};
#ifdef _WIN32
    return url.toLocalFile();
#else
    // The path's own bytes, before Qt decodes them as UTF-8.
    if (!url.host().isEmpty())
        return url.toLocalFile();
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return PathText(bytes.toStdString());
#endif
}
