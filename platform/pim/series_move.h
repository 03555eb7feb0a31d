#pragma once

#include "platform/pim/ical_document.h"

#include <libical/ical.h>

#include <vector>

namespace pim {

// How the dates that name occurrences of a series (EXDATE, RDATE, RECURRENCE-ID) follow its
// moved start: each by the start's own offset, in wall-clock time of the series' time zone (or
// in days for a series of dates), and written in its own form again (UTC stays UTC, a TZID stays).
class SeriesMove {
public:
    // oldStart: DTSTART as read, its zone resolved; newStart: DTSTART as written (wall-clock time
    // of newForm).
    SeriesMove(const icaltimetype& oldStart, const TimeForm& oldForm, const icaltimetype& newStart,
               const TimeForm& newForm);

    // Moves the dates of an EXDATE, RDATE or RECURRENCE-ID of component.
    void Move(icalproperty* property, icalcomponent* component) const;

    // What the moved series is, for Names: its rule (null for none) and the moved RDATEs of series.
    void SetSeries(icalcomponent* series);
    // Whether the (moved) date of an EXDATE or RECURRENCE-ID of component names an occurrence of
    // the moved series; false when it would name none, and so lose what it says.
    bool Names(icalproperty* property, icalcomponent* component) const;
    // The property's date in the wall-clock time of the series, as text for a reason.
    QString Describe(icalproperty* property, icalcomponent* component) const;

private:
    // The value as wall-clock time of a series of that form (a date for a series of dates).
    icaltimetype toFrame(icaltimetype value, const TimeForm& frame) const;
    icaltimetype moved(const icaltimetype& value) const;

    TimeForm m_oldForm;
    TimeForm m_newForm;
    icaltimetype m_newStart; // wall-clock, no zone
    int m_days = 0;
    int m_seconds = 0;
    bool m_hasRule = false;
    icalrecurrencetype m_rule {};
    std::vector<icaltimetype> m_dates; // RDATEs, wall-clock
};

} // namespace pim
