#include "sharedprobe.h"

#include "core/base/datetext.h"

std::string probeFixedDateText(int year, int month, int day) {
    vsolo::TimeValue date;
    if (!date.setDate(year, month, day)) {
        return {};
    }
    return vsolo::fixedDateText(date);
}
