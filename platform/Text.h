// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the system's byte strings and Qt's strings. Text is
// UTF-8 everywhere inside the editor: the source text in the edit control,
// messages, the string table, names and labels; every conversion between
// bytes and QString goes through ToQString and ToBytes. (A legacy file's
// Windows-1252 bytes become UTF-8 when it is read, base/TextFormat.h.)
// Bytes that are not UTF-8 show as U+FFFD. File names use the file
// system's own encoding.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace plc {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToBytes(const QString& text) { return text.toUtf8().toStdString(); }

inline QString FileNameToQString(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

inline std::string FileNameToBytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

}  // namespace plc
