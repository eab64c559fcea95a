#pragma once

#include <QString>
#include <stdexcept>

namespace ds {

// A refusal of the data layer (a required field left empty, a value out of range, a bad
// entry). what() is the text for the user, UTF-8.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace ds
