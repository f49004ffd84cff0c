#pragma once

#include <QByteArray>
#include <QString>

namespace qpn {

// Width and kana conversion of CP932 text. scope 1 converts ASCII only,
// scope 2 half-width katakana only, any other value both.
enum JcodeScope : int { JcodeAscii = 1, JcodeKatakana = 2, JcodeAll = 3 };

// Half-width ASCII and katakana to their full-width forms; ｶﾞ becomes ガ.
QByteArray ToZenkaku(const QByteArray &text, int scope = JcodeAll);
// Full-width ASCII forms and katakana to half width; ガ becomes ｶﾞ.
QByteArray ToHankaku(const QByteArray &text, int scope = JcodeAll);
// Hiragana ぁ–ん to katakana ァ–ン.
QByteArray HiraganaToKatakana(const QByteArray &text);

// The same on Unicode text. Characters without an exact CP932 form pass
// through untouched instead of becoming "?".
QString ToZenkaku(const QString &text, int scope = JcodeAll);
QString ToHankaku(const QString &text, int scope = JcodeAll);
QString HiraganaToKatakana(const QString &text);

} // namespace qpn
