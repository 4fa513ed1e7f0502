// The maker's contact lines shown by the start window and the about window. The three name
// lines answer in the run's language at every read; the others are the same in both.
#pragma once

#include <QString>

namespace vnt {

class RunContext;

class clsADRESSE {
public:
    explicit clsADRESSE(const RunContext &ctx) : ctx_(ctx) {}

    QString FIRMA1() const;
    QString FIRMA2() const;
    QString PLZ() const;
    QString STR() const;
    QString VORSITZ() const;
    QString TEL() const;
    QString FAX() const;
    QString EMAIL() const;
    QString URL() const;

    // The chair's role in front of VORSITZ, by language code.
    static QString rolePrefix(int sprache);

private:
    QString byLanguage(const char *english, const char *german) const;
    const RunContext &ctx_;
};

} // namespace vnt
