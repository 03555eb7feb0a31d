#pragma once

// Control ids of the schedule, memo and message pages of Deskhand2, beside those every data page
// has (ui2/resource.h).
namespace dh2::ids {

enum : int {
    IDC_LOCAL_SOURCE = 1044, // "View All" on the schedule page, "Memo" on the memo page
    IDC_ORGANIZER_MOBILE_SELECT_ALL = 1045,
    IDC_ORGANIZER_PC_SELECT_ALL = 1046,
    IDC_MONTH = 1047,
    IDC_DAY = 1048,
    IDC_MONTH_GRID = 1049,
    IDC_MONTH_LABEL = 1060,
    IDC_PREV_MONTH = 1061,
    IDC_NEXT_MONTH = 1062,
    IDC_DAY_GRID = 1063,
    IDC_PHONE_LIST = 1022, // the phone's schedule entries, memos or messages
    IDC_SMS_NEW = 1000,
    IDC_SMS_EDIT = 1043,
    IDC_SMS_LABEL = 1051,
};

// Strings of the pages.
enum : int {
    IDS_PHONE_LIST_STATUS = 62515,
    IDS_SEND_FAILED = 62516,
    IDS_SAVE_FAILED = 62517,
    IDS_CALENDAR = 62521,
    IDS_STORE_QUESTION = 62529,
    IDS_DELETE_ON_PHONE_QUESTION = 62530,
    IDS_REPEAT = 62531,
    IDS_SUBJECT = 62541,
    IDS_DATE = 62542,
    IDS_TIME = 62543,
    IDS_ALARM = 62544,
    IDS_STATUS = 62545,
    IDS_NUMBER = 62546,
    // Outcomes the phone did not confirm: what may have happened, and to read again first.
    IDS_LIST_UNCONFIRMED = 64350,
    IDS_STORE_UNCONFIRMED = 64351,
    IDS_SEND_UNCONFIRMED = 64352,
    IDS_DELETE_UNCONFIRMED = 64353, // %1: the message's index
};

} // namespace dh2::ids
