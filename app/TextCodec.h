// The one place where the editor turns the core's Windows-1252 text into
// QString and back, and the core's file paths (the file system's own bytes)
// into QString and back.
#pragma once

#include "base/Cp1252.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QString>
#include <QTextDocument>

#include <string>

namespace tavimor {

// A character that the code page lacks (π, ≤, Greek, an emoji) is kept in
// the core as its HTML character reference ("&#960;"), which every page and
// export shows as the character, and comes back to the editor as itself.
inline QString FromCore(const std::string& text)
{
    return QString::fromStdString(Cp1252ToUtf8ResolvingReferences(text));
}

inline std::string ToCore(const QString& text)
{
    return Utf8ToCp1252Referencing(text.toStdString());
}

// Text for a multi-line box: the core keeps CR LF (or a lone CR or LF) as a
// line break; the box wants LF.
inline QString FromCoreMemo(const std::string& text)
{
    QString shown = FromCore(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// A multi-line box's text for the core: every line break becomes CR LF, as
// the text boxes of the original program gave them.
inline std::string ToCoreMemo(const QString& text)
{
    QString stored = text;
    stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToCore(stored);
}

// The text of a multi-line box as the core keeps it (line breaks as CR LF,
// non-breaking spaces kept: toPlainText would turn them into blanks).
inline std::string MemoToCore(const QPlainTextEdit& memo)
{
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return ToCoreMemo(text);
}

inline void ShowInMemo(QPlainTextEdit& memo, const std::string& text)
{
    memo.setPlainText(FromCoreMemo(text));
}

// A path as the core's file functions take it (the file system's encoding).
inline std::string PathToCore(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

inline QString PathFromCore(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace tavimor
