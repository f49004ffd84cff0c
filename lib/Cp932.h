#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace qpn {

// Text leaves the program in the Windows Japanese code page (windows-31j,
// "CP932"): files we exchange and the byte sizes of table columns. Inside the
// program it is Unicode. These helpers convert between the two through ICU.
//
// Encoding uses the converter's fallbacks as Windows does, so the punctuation
// that Japanese input methods on Linux produce (〜 U+301C, − U+2212, ‖, —, ¥)
// lands on its CP932 form. Characters CP932 lacks become "?".
QByteArray ToCp932(QStringView text);
// Bytes that are no CP932 character (0x80, 0xA0, 0xFD–0xFF, a lead byte
// without its trail byte) become U+FFFD.
QString FromCp932(QByteArrayView bytes);

// The number of bytes ToCp932 gives for the text.
int Cp932ByteLength(QStringView text);
// The bytes one character takes in CP932 (0 for invisible format characters
// the converter drops, 1 for "?" when CP932 lacks it).
int Cp932CharLength(char32_t codePoint);
// True for the characters CP932 holds in one byte: ASCII and half-width katakana.
bool IsCp932SingleByte(char32_t codePoint);

// True when the character comes back as itself from CP932 (not for the
// fallbacks such as 〜 U+301C, which come back as ～ U+FF5E).
bool RoundTripsCp932(char32_t codePoint);

// The longest start of the text that fits in maxBytes CP932 bytes; a
// two-byte character that would be split is left out whole.
QString CutToBytes(const QString &text, int maxBytes);

// The code point starting at text[index]; advances index past it. A lone
// surrogate is returned as itself.
char32_t NextCodePoint(QStringView text, qsizetype &index);

// True when every character of the text has a CP932 form. Otherwise false,
// with the first character that has none in *firstBad (an emoji, 𠮷).
bool CanEncodeCp932(QStringView text, char32_t *firstBad = nullptr);

} // namespace qpn
