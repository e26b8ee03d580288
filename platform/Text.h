// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the system's 8-bit text and Qt's strings. Source text
// and messages are Latin-1, which round-trips all 256 byte values; file names
// use the file system's own encoding.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace plc {

inline QString ToQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToBytes(const QString& text) { return text.toLatin1().toStdString(); }

inline QString FileNameToQString(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

inline std::string FileNameToBytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

}  // namespace plc
