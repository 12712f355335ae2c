#pragma once

#include <exception>

// Ends a handler after the user has already been told why (a rejected number box): the handler guard and
// UpdateData let it pass without a further message.
class UserException : public std::exception {
public:
    const char* what() const noexcept override { return "the user has been informed"; }
};
