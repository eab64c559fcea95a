#include "desktop/messages.h"

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

Answer deliver(MessageKind kind, const QString& text, const QString& title, QWidget* parent)
{
    const Message m{kind, captionOr(title), text};
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
