#include "desktop/messages.h"

#include "desktop/caption_width.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace desktop {

namespace {

MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}

QString& defaultCaptionText()
{
    static QString caption;
    return caption;
}

QString captionOr(const QString& title)
{
    return title.isEmpty() ? defaultCaption() : title;
}

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Question:
    case MessageKind::Choice:
        return QMessageBox::Question;
    case MessageKind::Plain:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

// Shows the real box. Questions get "Tak"/"Nie" (Escape answers "Nie"); the rest one "OK".
Answer showBox(const Message& m, QWidget* parent)
{
    QMessageBox box(iconOf(m.kind), m.title, m.text, QMessageBox::NoButton, parent);
    // Error texts come from the database and the file system; "<" in them is not markup.
    box.setTextFormat(Qt::PlainText);
    fitCaption(box);
    if (m.kind == MessageKind::Choice) {
        QList<QAbstractButton*> buttons;
        for (const QString& choice : m.choices)
            buttons << box.addButton(choice, QMessageBox::ActionRole);
        box.setDefaultButton(static_cast<QPushButton*>(buttons.first()));
        box.setEscapeButton(buttons.last());
        box.exec();
        const qsizetype chosen = buttons.indexOf(box.clickedButton());
        return static_cast<Answer>(static_cast<int>(Answer::First) + (chosen < 0 ? buttons.size() - 1 : chosen));
    }
    if (m.kind != MessageKind::Question) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return Answer::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

Answer deliver(MessageKind kind, const QString& text, const QString& title, QWidget* parent, const QStringList& choices = {})
{
    const Message m{kind, captionOr(title), text, choices};
    if (handler())
        return handler()(m);
    return showBox(m, parent);
}

} // namespace

void showError(const QString& text, QWidget* parent)
{
    deliver(MessageKind::Error, text, {}, parent);
}

void showMessage(const QString& text, const QString& title, QWidget* parent)
{
    deliver(MessageKind::Plain, text, title, parent);
}

void showInformation(const QString& text, const QString& title, QWidget* parent)
{
    deliver(MessageKind::Information, text, title, parent);
}

void showWarning(const QString& text, const QString& title, QWidget* parent)
{
    deliver(MessageKind::Warning, text, title, parent);
}

Answer ask(const QString& text, const QString& title, QWidget* parent)
{
    return deliver(MessageKind::Question, text, title, parent) == Answer::Yes ? Answer::Yes : Answer::No;
}

int choose(const QString& text, const QStringList& choices, const QString& title, QWidget* parent)
{
    const Answer a = deliver(MessageKind::Choice, text, title, parent, choices.mid(0, 4));
    const int chosen = static_cast<int>(a) - static_cast<int>(Answer::First);
    // Any other answer is the box closed: the last choice.
    return chosen >= 0 && chosen < choices.size() ? chosen : static_cast<int>(choices.size()) - 1;
}

void setDefaultCaption(const QString& caption)
{
    defaultCaptionText() = caption;
}

QString defaultCaption()
{
    return defaultCaptionText().isEmpty() ? QCoreApplication::applicationName() : defaultCaptionText();
}

void setMessageHandler(MessageHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
