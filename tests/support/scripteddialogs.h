#pragma once

#include "app/dialogs.h"

#include <QList>
#include <QStringList>

namespace quillon::test {

// Answers the window's dialogs from a script and records every one shown. A file dialog that
// the script did not expect is counted, so the test can fail on it.
class ScriptedDialogs final : public Dialogs {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon;
        bool operator==(const Message &) const = default;
    };
    struct SaveRequest {
        QString title;
        QString filter;
        QString proposedName;
    };

    QList<Message> messages;
    QList<SaveRequest> saveRequests;
    QList<std::optional<QString>> saveAnswers; // nullopt: the user cancels
    int unexpectedDialogs = 0;

    void showMessage(QWidget *, const QString &text, const QString &title, Icon icon) override
    {
        messages.append({text, title, icon});
    }

    std::optional<QString> askSaveFileName(QWidget *, const QString &title, const QString &filter,
                                           const QString &proposedName) override
    {
        saveRequests.append({title, filter, proposedName});
        if (saveAnswers.isEmpty()) {
            ++unexpectedDialogs;
            return std::nullopt;
        }
        return saveAnswers.takeFirst();
    }

    QStringList messageTexts() const
    {
        QStringList out;
        for (const Message &m : messages)
            out << m.text;
        return out;
    }
};

} // namespace quillon::test
