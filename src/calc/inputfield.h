// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// The rules of the typed number fields (debt, contractual rate, the editor's
// rate). They work on texts, so the window applies them to any line edit.
namespace calc {

// What a typed character becomes: "." turns into ",", digits, the comma and
// backspace (code 8) pass; everything else comes back as a null QChar (dropped).
QChar filterTypedKey(QChar typed);

// Keeps a field's text a number while it is typed: the text shortened from its
// end until it reads as a number, or emptied.
QString longestNumberPrefix(const QString &text);

// A text taken whole as a field takes what is typed or pasted into it: blanks
// around it trimmed, every character through the key filter (so "." becomes
// ","), at most `limit` characters, and the whole reads as a number. A sign,
// an exponent or a letter is none of that: such a text is refused, not read.
enum class TypedNumber { Ok, Empty, BadCharacter, TooLong, NotANumber };
TypedNumber readTypedNumber(QStringView text, int limit, QString &typed);

// Normalises a field's text when the field is left: "0" before a leading comma,
// the default for an empty text, a trailing comma dropped, then its shortest
// decimal form ("007,50" -> "7,5", never an exponent), or the default when the
// number is zero. Other texts (a sign, an exponent) go through the general form. A text that still
// does not read as a number (only reachable by bypassing longestNumberPrefix) also becomes the
// default.
QString normalisedNumber(const QString &text, const QString &defaultText);

// Leaving the debt field: normalisedNumber with "0", then the amount form.
QString normalisedAmount(const QString &text);

} // namespace calc
