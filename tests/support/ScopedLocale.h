#pragma once

#include <string>

// Switches the C library's numeric locale for one scope, so that tests can show that reading and
// writing numbers does not depend on it. available() is false when the machine lacks the locale.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    bool available() const { return available_; }

private:
    std::string previous_;
    bool available_ = false;
};
