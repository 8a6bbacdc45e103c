#pragma once
#include <stdexcept>
#include <string>

// The one error type of the program: a run-time error with the message a user sees.
class RunError : public std::runtime_error {
public:
    explicit RunError(const std::string& message) : std::runtime_error(message) {}
};
