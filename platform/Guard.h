// The error box of a procedure that handles its own run-time errors.
// Its statements run as steps: on a VbError the guard shows
//   prefix + number + line break + description   (OK and Cancel, exclamation icon, the title)
// OK goes on with the next step; Cancel skips every later step and runs only the closing ones.
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <set>

namespace vnt {

class Guard {
public:
    // prefix: "VB-Error: ", "VB-Fehler: " or "VB-Fehler:" as the procedure's owner writes it.
    Guard(QString prefix, QString title);

    // Runs one step unless the procedure was left. Returns false when it was left, so that
    // `if (!g.step(...)) return g.result(false);` reads naturally.
    bool step(const std::function<void()> &f);
    // A closing step: runs whether or not the procedure was left; its errors are swallowed.
    void always(const std::function<void()> &f);

    // Errors that end the procedure silently (no box), as the panel commands do with 380 and 32755.
    void silent(std::initializer_list<int> numbers) { silent_.insert(numbers.begin(), numbers.end()); }
    void setTitle(const QString &t) { title_ = t; }

    bool left() const { return left_; }         // Cancel pressed, or a silent error
    bool failed() const { return errors_ > 0; } // any error at all
    int lastError() const { return lastError_; }
    QString lastDescription() const { return lastDescription_; }

    // Shows the box for an error caught elsewhere; true = OK (go on), false = Cancel.
    bool report(int number, const QString &description);

private:
    QString prefix_, title_;
    std::set<int> silent_;
    bool left_ = false;
    int errors_ = 0;
    int lastError_ = 0;
    QString lastDescription_;
};

} // namespace vnt
