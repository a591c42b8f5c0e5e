#pragma once
// File names and printer ports between Qt and the core. Qt's own encoding of file names is
// used, so a name that Qt lists is the same file for the core.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <filesystem>
#include <string>

namespace zw {

inline std::filesystem::path AlsPfad(const QString& name) {
#ifdef _WIN32
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(name).toStdString());
#endif
}

// A port string as the transports take it: UTF-8 on Windows, the file-name
// encoding elsewhere, so that a path Qt lists is the same device.
inline std::string PortBytes(const QString& port) {
#ifdef _WIN32
    return port.toStdString();
#else
    return QFile::encodeName(port).toStdString();
#endif
}

inline QString PortText(const std::string& bytes) {
#ifdef _WIN32
    return QString::fromStdString(bytes);
#else
    return QFile::decodeName(QByteArray::fromStdString(bytes));
#endif
}

// The name of a file without its folder, and its folder as the system
// writes it, for captions and for where a file dialog starts.
inline QString DateiName(const QString& pfad) {
    return QFileInfo(pfad).fileName();
}
inline QString Ordner(const QString& pfad) {
    return QDir::toNativeSeparators(QFileInfo(pfad).absolutePath());
}

} // namespace zw
