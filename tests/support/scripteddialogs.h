#pragma once

#include "app/dialogs.h"

#include <QList>
#include <QStringList>
#include <QTest>

namespace quillon::test {

// Answers the window's dialogs from a script and records every one shown. A save dialog with
// no scripted answer fails the running test at once; a message the test never took with
// takeMessages() fails it when the script is destroyed.
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
        int offeredType = 0;
    };

    QList<SaveRequest> saveRequests;
    QList<std::optional<QString>> saveAnswers; // nullopt: the user cancels
    QList<int> saveTypeAnswers;                // the file type picked; the first when empty
    QStringList questions;                     // every yes/no question asked
    QList<bool> questionAnswers;               // an unscripted question fails the test
    QStringList openRequests;                  // the filters offered
    QList<std::optional<QString>> openAnswers;

    ScriptedDialogs() = default;
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;
    ~ScriptedDialogs() override
    {
        for (const Message &m : std::as_const(m_messages))
            QTest::qFail(qPrintable(QStringLiteral("message box nobody expected: \"%1\" \"%2\"")
                                        .arg(m.title, m.text)),
                         __FILE__, __LINE__);
    }

    // The messages shown since the last call; each one must be taken by the test.
    QList<Message> takeMessages() { return std::exchange(m_messages, {}); }
    QStringList takeMessageTexts()
    {
        QStringList out;
        for (const Message &m : takeMessages())
            out << m.text;
        return out;
    }

    void showMessage(QWidget *, const QString &text, const QString &title, Icon icon) override
    {
        m_messages.append({text, title, icon});
    }

    bool askYesNo(QWidget *, const QString &text, const QString &) override
    {
        questions.append(text);
        if (questionAnswers.isEmpty()) {
            QTest::qFail(qPrintable(QStringLiteral("question nobody expected: \"%1\"").arg(text)),
                         __FILE__, __LINE__);
            return false;
        }
        return questionAnswers.takeFirst();
    }

    std::optional<QString> askSaveFileName(QWidget *, const QString &title, const QString &filter,
                                           const QString &proposedName) override
    {
        saveRequests.append({title, filter, proposedName, m_offeredType});
        if (saveAnswers.isEmpty()) {
            QTest::qFail(
                qPrintable(QStringLiteral("save dialog nobody expected: \"%1\"").arg(title)),
                __FILE__, __LINE__);
            return std::nullopt;
        }
        return saveAnswers.takeFirst();
    }

    std::optional<QString> askSaveFileNameAndType(QWidget *parent, const QString &title,
                                                  const QString &filter,
                                                  const QString &proposedName,
                                                  int *chosenType) override
    {
        m_offeredType = *chosenType;
        *chosenType = saveTypeAnswers.isEmpty() ? m_offeredType : saveTypeAnswers.takeFirst();
        auto answer = askSaveFileName(parent, title, filter, proposedName);
        m_offeredType = 0;
        return answer;
    }

    std::optional<QString> askOpenFileName(QWidget *, const QString &title, const QString &filter,
                                           const QString &) override
    {
        openRequests.append(filter);
        if (openAnswers.isEmpty()) {
            QTest::qFail(
                qPrintable(QStringLiteral("open dialog nobody expected: \"%1\"").arg(title)),
                __FILE__, __LINE__);
            return std::nullopt;
        }
        return openAnswers.takeFirst();
    }

private:
    QList<Message> m_messages;
    int m_offeredType = 0;
};

} // namespace quillon::test
