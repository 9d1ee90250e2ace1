#include "app/windowsettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace quillon {

WindowSettings::WindowSettings(const QString &file)
{
    if (!file.isEmpty())
        m_store = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

WindowSettings::~WindowSettings() = default;

QString WindowSettings::userFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quillon/Quillon.conf");
}

void WindowSettings::keepQtStateWithOurs()
{
    const QString folder = QFileInfo(userFile()).absolutePath();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

QVariant WindowSettings::value(const QString &key) const
{
    return m_store ? m_store->value(key) : m_thisRun.value(key);
}

void WindowSettings::setValue(const QString &key, const QVariant &value)
{
    if (m_store)
        m_store->setValue(key, value);
    else
        m_thisRun.insert(key, value);
}

QString WindowSettings::text(const QString &key) const
{
    return value(key).toString();
}

void WindowSettings::setText(const QString &key, const QString &value)
{
    setValue(key, value);
}

QByteArray WindowSettings::geometry() const
{
    return value(QStringLiteral("window/geometry")).toByteArray();
}

void WindowSettings::setGeometry(const QByteArray &geometry)
{
    setValue(QStringLiteral("window/geometry"), geometry);
}

QString WindowSettings::openFolder() const
{
    return text(QStringLiteral("window/folder"));
}

void WindowSettings::setOpenFolder(const QString &folder)
{
    setText(QStringLiteral("window/folder"), folder);
}

QString WindowSettings::outputOption() const
{
    return text(QStringLiteral("window/outputOption"));
}

void WindowSettings::setOutputOption(const QString &option)
{
    setText(QStringLiteral("window/outputOption"), option);
}

std::optional<WindowSettings::SaveChoice> WindowSettings::saveChoice(const QString &option) const
{
    const QString group = QStringLiteral("saveAs.") + option;
    SaveChoice choice{text(group + QStringLiteral("/file")), text(group + QStringLiteral("/type"))};
    if (choice.fileName.isEmpty() || choice.type.isEmpty())
        return std::nullopt;
    return choice;
}

void WindowSettings::setSaveChoice(const QString &option, const SaveChoice &choice)
{
    const QString group = QStringLiteral("saveAs.") + option;
    setText(group + QStringLiteral("/file"), choice.fileName);
    setText(group + QStringLiteral("/type"), choice.type);
}

QString WindowSettings::writtenListFolder() const
{
    return text(QStringLiteral("tickAsInList/folder"));
}

void WindowSettings::setWrittenListFolder(const QString &folder)
{
    setText(QStringLiteral("tickAsInList/folder"), folder);
}

} // namespace quillon
