// Shared test helpers: scripted boxes that fail the test on a box nobody expected,
// temporary folders, and locale switching.
#pragma once

#include <gtest/gtest.h>
#include <QLocale>
#include <QTemporaryDir>
#include <optional>
#include <utility>
#include <vector>
#include "platform/system.h"
#include "platform/ui.h"

namespace vnt::test {

// Message boxes answered in order; an unexpected one fails the running test.
class Boxes : public ui::ScriptedBoxes {
public:
    Boxes() { onUnexpected = [](const QString &what) { ADD_FAILURE() << "unexpected box: " << what.toStdString(); }; }
    ~Boxes() override { EXPECT_EQ(pending(), 0) << "expected boxes were not shown"; }
};

// Sets the locale for the lifetime of the object: German (Germany), English (United States), or
// the C locale that a fresh machine or xvfb-run gives (LANG=C.UTF-8).
class LocaleScope {
public:
    explicit LocaleScope(QLocale::Language lang) : old_(sys::locale()) { sys::setLocale(localeOf(lang)); }
    ~LocaleScope() { sys::setLocale(old_); }
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;

    static QLocale localeOf(QLocale::Language lang)
    {
        switch (lang) {
        case QLocale::German: return QLocale(QLocale::German, QLocale::Germany);
        case QLocale::C: return QLocale::c();
        default: return QLocale(QLocale::English, QLocale::UnitedStates);
        }
    }
    static const char *nameOf(QLocale::Language lang)
    {
        return lang == QLocale::German ? "de" : lang == QLocale::C ? "C" : "en";
    }

private:
    QLocale old_;
};

// The locales every text shown and read back must survive.
inline constexpr QLocale::Language kEveryLocale[] = {QLocale::German, QLocale::English, QLocale::C};

// Sets environment variables for its lifetime.
struct EnvScope {
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved;
    void set(const char *name, const std::optional<QByteArray> &value)
    {
        saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        value ? qputenv(name, *value) : qunsetenv(name);
    }
    ~EnvScope()
    {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it)
            it->second ? qputenv(it->first, *it->second) : qunsetenv(it->first);
    }
};

} // namespace vnt::test
