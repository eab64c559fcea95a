#pragma once

#include <QString>
#include <exception>
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

// A row could not be saved because of another connection (another desk): it changed or
// deleted the row since it was read here, or it holds the row now. The values typed stay in
// the dataset, which stays in its editing state.
class RowConflict : public Error {
public:
    enum class Kind { Changed, Deleted, Held };
    RowConflict(Kind kind, const QString& message) : Error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// The failure is the database connection gone (the server stopped, the network cut).
bool isConnectionLost(const std::exception& failure);

} // namespace ds
