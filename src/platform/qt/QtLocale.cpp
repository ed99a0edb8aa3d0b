#include "platform/qt/QtLocale.h"

#include <QStringDecoder>

#include "platform/qt/QtText.h"

namespace kestrava::platform {
namespace {

DateTimeNames::DayPeriod DayPeriodOf(const QString& text) {
    return {FromQString(text), FromQString(text.toUpper()), FromQString(text.toLower())};
}

// Qt's short dates have a two-digit year (M/d/yy, dd.MM.yy), which the general date
// format writes with four. Every "yy" of the pattern becomes "yyyy", read as Qt reads
// runs of "y" (four at a time, then two, a lone one being text) and outside quotes.
QString WithFourDigitYear(const QString& pattern) {
    QString widened;
    for (qsizetype at = 0; at < pattern.size();) {
        if (pattern[at] == u'\'') {
            const qsizetype close = pattern.indexOf(u'\'', at + 1);
            const qsizetype end = close < 0 ? pattern.size() : close + 1;
            widened += pattern.mid(at, end - at);
            at = end;
            continue;
        }
        if (pattern[at] != u'y') {
            widened += pattern[at++];
            continue;
        }
        qsizetype run = 0;
        while (at + run < pattern.size() && pattern[at + run] == u'y') {
            ++run;
        }
        at += run;
        for (; run >= 2; run -= run >= 4 ? 4 : 2) {
            widened += QStringLiteral("yyyy");
        }
        if (run == 1) {
            widened += u'y';
        }
    }
    return widened;
}

}  // namespace

DateTimeNames QtLocale::dateTimeNames() const {
    DateTimeNames names;
    names.shortDatePattern =
        FromQString(WithFourDigitYear(locale_.dateFormat(QLocale::ShortFormat)));
    names.longTimePattern = FromQString(locale_.timeFormat(QLocale::LongFormat));
    for (int month = 1; month <= 12; ++month) {
        names.shortMonthNames[month - 1] =
            FromQString(locale_.monthName(month, QLocale::ShortFormat));
        names.longMonthNames[month - 1] =
            FromQString(locale_.monthName(month, QLocale::LongFormat));
    }
    for (int day = 1; day <= 7; ++day) {
        names.shortDayNames[day - 1] = FromQString(locale_.dayName(day, QLocale::ShortFormat));
        names.longDayNames[day - 1] = FromQString(locale_.dayName(day, QLocale::LongFormat));
    }
    names.am = DayPeriodOf(locale_.amText());
    names.pm = DayPeriodOf(locale_.pmText());
    // The zero may lie outside the basic plane; the other digits follow it.
    const QString zero = locale_.zeroDigit();
    const char32_t zeroCode = zero.size() == 2
                                  ? QChar::surrogateToUcs4(zero[0], zero[1])
                                  : char32_t{zero.isEmpty() ? u'0' : zero[0].unicode()};
    for (char32_t digit = 0; digit < 10; ++digit) {
        const char32_t code = zeroCode + digit;
        names.digits[digit] = FromQString(QString::fromUcs4(&code, 1));
    }
    names.negativeSign = FromQString(locale_.negativeSign());
    return names;
}

std::string QtLocale::decimalSeparator() const {
    return FromQString(locale_.decimalPoint());
}

}  // namespace kestrava::platform
