#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;

namespace quillon {

// What the window keeps between runs, in one INI file (Quillon.conf in the user's
// configuration folder, as XDG says). Without a file it remembers for this run only.
class WindowSettings {
public:
    // The last file a Save As wrote for an output option, and the type it wrote.
    struct SaveChoice {
        QString fileName;
        QString type; // a SaveType's key
    };

    explicit WindowSettings(const QString &file);
    ~WindowSettings();
    WindowSettings(const WindowSettings &) = delete;
    WindowSettings &operator=(const WindowSettings &) = delete;

    // The file the real window uses: Quillon/Quillon.conf in the XDG configuration folder.
    static QString userFile();
    // Makes Qt keep its own state (the file dialog's QtProject.conf) in the folder of
    // userFile(), not loose in the user's configuration folder.
    static void keepQtStateWithOurs();

    QByteArray geometry() const;
    void setGeometry(const QByteArray &geometry);

    QString openFolder() const;
    void setOpenFolder(const QString &folder);

    // Output options and file types go by their keys (savetypes.h).
    QString outputOption() const;
    void setOutputOption(const QString &option);

    std::optional<SaveChoice> saveChoice(const QString &option) const;
    void setSaveChoice(const QString &option, const SaveChoice &choice);

    // The folder of the last list opened by Tick As In A Written List.
    QString writtenListFolder() const;
    void setWrittenListFolder(const QString &folder);

private:
    QVariant value(const QString &key) const;
    void setValue(const QString &key, const QVariant &value);
    QString text(const QString &key) const;
    void setText(const QString &key, const QString &value);

    std::unique_ptr<QSettings> m_store;
    QHash<QString, QVariant> m_thisRun; // without a file
};

} // namespace quillon
