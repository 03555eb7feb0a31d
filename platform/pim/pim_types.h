#pragma once

#include <QString>

// Constants and the error report of the PIM object model. The numeric values are those of the
// desktop PIM's automation interface, so that callers written against it keep their numbers.
namespace pim {

// Default folders for NameSpace::GetDefaultFolder.
enum OlDefaultFolders { olFolderCalendar = 9, olFolderContacts = 10, olFolderNotes = 12 };

// Item types for Application::CreateItem.
enum OlItemType { olAppointmentItem = 1, olContactItem = 2, olNoteItem = 5 };

// Recurrence types of a RecurrencePattern. olRecursOther is ours: a rule read from a file that
// no pattern can express (hourly, a negative month day, ...).
enum OlRecurrenceType {
    olRecursOther = -1,
    olRecursDaily = 0,
    olRecursWeekly = 1,
    olRecursMonthly = 2,
    olRecursMonthNth = 3,
    olRecursYearly = 5,
    olRecursYearNth = 6,
};

// Bits of RecurrencePattern::DayOfWeekMask.
enum OlDaysOfWeek {
    olSunday = 1,
    olMonday = 2,
    olTuesday = 4,
    olWednesday = 8,
    olThursday = 16,
    olFriday = 32,
    olSaturday = 64,
};

enum class ErrorCode {
    None,
    StoreUnavailable, // log-on refused: the store is missing and cannot be created, or not readable
    NotLoggedOn,
    InvalidArgument,
    NotFound,         // no item with that EntryID, or its file is already gone
    ReadFailed,
    WriteFailed,
    ItemDeleted,      // the item was deleted through this object
};

// What the automation reported as an exception: every call that can fail takes an optional
// Error* and returns false or null.
struct Error {
    ErrorCode code = ErrorCode::None;
    QString description;
};

// Fills *error when given; returns false so that a failing call can end with `return Fail(...)`.
inline bool Fail(Error* error, ErrorCode code, const QString& description)
{
    if (error)
        *error = Error{code, description};
    return false;
}

} // namespace pim
