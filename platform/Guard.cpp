// The error box of a procedure that handles its own run-time errors.
#include "Guard.h"
#include "errors.h"
#include "ui.h"

#include <exception>
#include <new>

namespace vnt {

namespace {

// Not every failure arrives as a run-time error of the program; those that do not get
// the number users and tests know for an internal failure.
constexpr int InternalError = 51;

} // namespace

Guard::Guard(QString prefix, QString title)
    : prefix_(std::move(prefix)), title_(std::move(title))
{
}

bool Guard::step(const std::function<void()> &f)
{
    if (left_)
        return false;
    int number = 0;
    QString description;
    try {
        f();
        return true;
    } catch (const VbError &e) {
        number = e.number;
        description = e.description;
    } catch (const std::bad_alloc &) {
        number = err::OutOfMemory;
        description = QStringLiteral("Out of memory");
    } catch (const std::exception &e) {
        number = InternalError;
        description = QString::fromLocal8Bit(e.what());
    }
    if (silent_.count(number)) {
        ++errors_;
        lastError_ = number;
        lastDescription_ = description;
        left_ = true;
        return false;
    }
    return report(number, description);
}

void Guard::always(const std::function<void()> &f)
{
    try {
        f();
    } catch (...) {
        // A closing step must not stop the ones after it.
    }
}

bool Guard::report(int number, const QString &description)
{
    ++errors_;
    lastError_ = number;
    lastDescription_ = description;
    const QString text = prefix_ + QString::number(number) + QLatin1Char('\n') + description;
    const bool goOn = ui::MsgBox(text, ui::vbOKCancel + ui::vbExclamation, title_) == ui::vbOK;
    if (!goOn)
        left_ = true;
    return goOn;
}

} // namespace vnt
