#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace flashcheck {

// Windows-1252 both ways. The five bytes 1252 leaves undefined map to the C1 code points
// of the same value, as Windows itself does.
QString fromWindows1252(QByteArrayView bytes);
// The 1252 byte of a code point up to U+00FF or one of the characters 1252 places in
// 0x80-0x9F; nothing for any other code point.
std::optional<char> toWindows1252(char32_t codePoint);

} // namespace flashcheck
