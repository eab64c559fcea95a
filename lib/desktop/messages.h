#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace desktop {

// Every message box of the program goes through here, so that a test can answer it and
// see what was shown instead of waiting on a modal loop.
enum class MessageKind { Error, Information, Warning, Question, Plain, Choice };
// First to Fourth: the buttons of a choice (choose), in their order.
enum class Answer { Ok, Cancel, Yes, No, First, Second, Third, Fourth };

struct Message {
    MessageKind kind;
    QString title;
    QString text;
    QStringList choices; // the buttons of a choice
};

// Shows the standard error box: the application title as caption, the text, one OK button.
void showError(const QString& text, QWidget* parent = nullptr);
// A plain message dialog without an icon, captioned `title` (the application title when empty):
// results of checks and failed searches.
void showMessage(const QString& text, const QString& title = {}, QWidget* parent = nullptr);
// An information box captioned `title` (the application title when empty).
void showInformation(const QString& text, const QString& title = {}, QWidget* parent = nullptr);
void showWarning(const QString& text, const QString& title = {}, QWidget* parent = nullptr);
// A Yes/No question; Answer::Yes or Answer::No.
Answer ask(const QString& text, const QString& title = {}, QWidget* parent = nullptr);
// A question with up to four buttons of its own; the chosen one's index. The first is the
// default button, the last answers Escape and closing the box.
int choose(const QString& text, const QStringList& choices, const QString& title = {}, QWidget* parent = nullptr);

// The caption of boxes that name none: the program's title. It is not the application's
// display name, which the window system would append to every window's caption.
void setDefaultCaption(const QString& caption);
QString defaultCaption();

// Replaces the real boxes while set (tests): the handler gets each message and returns the
// answer. An empty function restores the real boxes.
using MessageHandler = std::function<Answer(const Message&)>;
void setMessageHandler(MessageHandler handler);

} // namespace desktop
