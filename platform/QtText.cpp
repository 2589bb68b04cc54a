#include "platform/QtText.h"

#include <QByteArray>
#include <QFile>

namespace plat {

QString ToQString(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text) {
    return text.toLatin1().toStdString();
}

QString PathToQString(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromQString(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace plat
