#pragma once
// File names between Qt and the core. Qt's own encoding of file names is
// used, so a name that Qt lists is the same file for the core.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <filesystem>

namespace zw {

inline std::filesystem::path AlsPfad(const QString& name) {
#ifdef _WIN32
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(name).toStdString());
#endif
}

inline QString AlsName(const std::filesystem::path& pfad) {
#ifdef _WIN32
    return QString::fromStdWString(pfad.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(pfad.native()));
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
