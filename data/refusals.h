#pragma once

#include <QString>
#include <exception>

namespace fb {
class Error;
}

namespace data {

// What a refusal of the database by one of the program's constraints means, in a Polish
// sentence: a duplicate key names the row that exists, a foreign key what the row depends on
// or what depends on it. Empty for any other failure. Installed as the client's explainer
// when the data module is made, so that every screen and the command line say it first.
QString explainRefusal(const fb::Error& error);
// The failure is the database refusing to delete a row that other rows refer to.
bool isReferencedRow(const std::exception& failure);

} // namespace data
