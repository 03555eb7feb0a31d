#pragma once

#include "platform/ole_date_time.h"
#include "platform/pim/recurrence_pattern.h"

#include <libical/ical.h>

namespace pim {

// An RRULE as pattern values, for an event starting at start. A rule the pattern cannot
// express gives olRecursOther.
RecurrenceFields FieldsFromRule(const icalrecurrencetype& rule, const COleDateTime& start);
// The RRULE of pattern values; values left 0 come from the start.
icalrecurrencetype RuleFromFields(const RecurrenceFields& fields, const COleDateTime& start);

} // namespace pim
