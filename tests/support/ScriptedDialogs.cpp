#include "ScriptedDialogs.h"

#include <QTest>

ScriptedDialogs::ScriptedDialogs() {
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    setDialogs(nullptr);
}

void ScriptedDialogs::answerWith(std::function<void()> action, MsgResult result) {
    // The action rides on the answer's position in the queue.
    while (m_actions.size() < m_answers.size())
        m_actions.enqueue({});
    m_actions.enqueue(std::move(action));
    answer(result);
}

QVariant ScriptedDialogs::take(const Call& call) {
    m_calls.append(call);
    if (m_answers.isEmpty()) {
        const QString what = QStringLiteral("Unexpected dialog \"%1\": %2").arg(call.title, call.text);
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
        return {};
    }
    std::function<void()> action;
    if (!m_actions.isEmpty())
        action = m_actions.dequeue();
    const QVariant a = m_answers.dequeue();
    if (action)
        action();
    return a;
}

MsgResult ScriptedDialogs::MessageBox(QWidget*, const QString& text, const QString& title, MsgIcon icon,
                                      MsgButtons buttons, MsgResult defaultButton) {
    const QVariant a = take({Kind::Message, text, title, icon, buttons, defaultButton, {}});
    if (a.typeId() == QMetaType::Int)
        return static_cast<MsgResult>(a.toInt());
    return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::Cancel;
}

QString ScriptedDialogs::InputBox(QWidget*, const QString& prompt, const QString& title, const QString& defaultText) {
    const QVariant a =
        take({Kind::Input, prompt, title, MsgIcon::None, MsgButtons::OKCancel, MsgResult::OK, defaultText});
    return a.typeId() == QMetaType::QString ? a.toString() : QString();
}

QString ScriptedDialogs::OpenFile(QWidget*, const QString& title, const QString& startFolder, const QString& filter) {
    const QVariant a =
        take({Kind::OpenFile, filter, title, MsgIcon::None, MsgButtons::OKCancel, MsgResult::OK, startFolder});
    return a.typeId() == QMetaType::QString ? a.toString() : QString();
}

QString ScriptedDialogs::SaveFile(QWidget*, const QString& title, const QString& proposedPath, const QString& filter) {
    const QVariant a =
        take({Kind::SaveFile, filter, title, MsgIcon::None, MsgButtons::OKCancel, MsgResult::OK, proposedPath});
    return a.typeId() == QMetaType::QString ? a.toString() : QString();
}

QString ScriptedDialogs::BrowseForFolder(QWidget*, const QString& title, const QString& startFolder) {
    const QVariant a = take({Kind::Folder, {}, title, MsgIcon::None, MsgButtons::OKCancel, MsgResult::OK, startFolder});
    return a.typeId() == QMetaType::QString ? a.toString() : QString();
}

bool ScriptedDialogs::OpenUrl(const QUrl& url) {
    const QVariant a = take({Kind::Url, url.toString(), {}, MsgIcon::None, MsgButtons::OK, MsgResult::OK, {}});
    return a.typeId() != QMetaType::Int || static_cast<MsgResult>(a.toInt()) != MsgResult::Cancel;
}
