#pragma once

#include "ui/common/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QVariant>
#include <functional>

// A dialogs service for tests: it answers from a queue filled in advance and records every call.
// A dialog that finds no answer waiting fails the running test with the dialog's title and text.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder, Url };

    struct Call {
        Kind kind;
        QString text; // message text, input prompt, or URL
        QString title;
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::OK;
        MsgResult defaultButton = MsgResult::OK;
        QString defaultText; // input box default, or the start folder
    };

    ScriptedDialogs();           // installs itself
    ~ScriptedDialogs() override; // restores the Qt service

    // Answers, taken in order by whichever dialog comes next.
    void answer(MsgResult result) { m_answers.enqueue(QVariant::fromValue(static_cast<int>(result))); }
    void answerText(const QString& text) { m_answers.enqueue(QVariant(text)); }
    // Runs when the next dialog appears (after it is recorded), then answers with result.
    void answerWith(std::function<void()> action, MsgResult result);

    const QList<Call>& calls() const { return m_calls; }
    const Call& last() const { return m_calls.last(); }
    int pending() const { return static_cast<int>(m_answers.size()); }
    void clear() {
        m_calls.clear();
        m_answers.clear();
    }

    using Dialogs::MessageBox;
    MsgResult MessageBox(QWidget* parent, const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                         MsgResult defaultButton) override;
    QString InputBox(QWidget* parent, const QString& prompt, const QString& title, const QString& defaultText) override;
    QString OpenFile(QWidget* parent, const QString& title, const QString& startFolder, const QString& filter) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& proposedPath, const QString& filter) override;
    QString BrowseForFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
    bool OpenUrl(const QUrl& url) override;

private:
    QVariant take(const Call& call);

    QQueue<QVariant> m_answers;
    QQueue<std::function<void()>> m_actions;
    QList<Call> m_calls;
};
