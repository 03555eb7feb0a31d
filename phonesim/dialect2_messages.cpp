// The second family's stored-message commands: listing and reading in text and PDU mode,
// storing a text typed at the prompt, sending a stored message, and the standard ones.
//
// How this phone answers where nothing else decides it:
// - A text-mode header is
//     +CMGL: <index>,"<status>","<number>","<name>","<yy/MM/dd,hh:mm:ss+zz>",<coding>
//   (AT+CMGR the same without the index); a stored message has no time stamp (",,<coding>").
//   The coding mark at the end says how the text on the next line goes: 0 in codes of the GSM
//   alphabet, one byte each; 2 as UCS-2, four hexadecimal digits a character; 1 (8-bit data)
//   as hexadecimal bytes. In the "SYNC" character set every text goes as UCS-2. Names go in
//   the GSM alphabet.
// - Listing or reading a received unread message marks it read, in either mode.
// - AT+CMGW (text mode only) takes the text after the prompt, ended by Ctrl-Z: in "SYNC" as
//   Base64 of its UTF-16 units, low byte first (line ends in between are ignored), in "GSM" as
//   codes of the GSM alphabet. It stores one message (160 GSM characters or 70 others at most)
//   as "STO UNSENT" at the lowest free index of the write storage and answers "+CMGW: <index>".
//   An ESC leaves the prompt without storing anything.
// - AT+CMSS=<index>[,"<number>"] sends a stored message of the write storage (a received one
//   answers +CMS ERROR: 302), marks it "STO SENT" and answers "+CMSS: <reference>".
#include "phonesim/command_fields.h"
#include "phonesim/dialect.h"
#include "phonesim/gsm_alphabet.h"
#include "phonesim/sms_pdu.h"
#include "phonesim/sms_pdu_text.h"
#include "phonesim/standard_commands.h"
#include "phonesim/text_field.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

constexpr const char* kStatusNames[] = {"REC UNREAD", "REC READ", "STO UNSENT", "STO SENT", "ALL"};
constexpr int kAllMessages = 4;
constexpr qsizetype kMaxGsmCharacters = 160;

bool TextMode(const PhoneState& state)
{
    return state.messageFormat == 1;
}

QByteArray TwoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

QByteArray Ucs2Hex(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return bytes.toHex().toUpper();
}

// The header fields after the index, and the text line, of a message in text mode.
QList<QByteArray> TextModeEntry(const StoredMessage& message, const PhoneState& state)
{
    const std::optional<PduContent> content = ReadPdu(message.pdu);
    const auto quoted = [](const QString& text) { return '"' + ToGsmCodes(QString(text).replace(u'"', u'?')) + '"'; };
    QByteArray stamp;
    if (content && content->received && content->time.isValid()) {
        const QDateTime& time = content->time;
        const int zone = content->zoneQuarters;
        stamp = '"' + TwoDigits(time.date().year() % 100) + '/' + TwoDigits(time.date().month()) + '/'
            + TwoDigits(time.date().day()) + ',' + TwoDigits(time.time().hour()) + ':' + TwoDigits(time.time().minute())
            + ':' + TwoDigits(time.time().second()) + (zone < 0 ? '-' : '+') + TwoDigits(std::abs(zone)) + '"';
    }
    int coding = PduContent::Gsm;
    QByteArray text;
    if (content && content->alphabet == PduContent::Data) {
        coding = PduContent::Data;
        text = content->data.toHex().toUpper();
    } else if (content && (content->alphabet == PduContent::Ucs2 || state.charset == "SYNC")) {
        coding = PduContent::Ucs2;
        text = Ucs2Hex(content->text);
    } else if (content) {
        text = ToGsmCodes(content->text);
    }
    const QByteArray header = '"' + QByteArray(kStatusNames[message.stat]) + "\"," + quoted(content ? content->number : message.number)
        + ',' + quoted(message.alpha) + ',' + stamp + ',' + QByteArray::number(coding);
    return {header, text};
}

// Received unread messages become read once shown.
void MarkRead(StoredMessage& message, PhoneState& state)
{
    if (message.stat == 0) {
        message.stat = 1;
        state.contentsChanged = true;
    }
}

Response list(const AtCommand& command, PhoneState& state)
{
    if (!TextMode(state))
        return ListMessagesInPduMode(command, state);
    if (command.form == Form::Test)
        return Response::ok({"+CMGL: (\"REC UNREAD\",\"REC READ\",\"STO UNSENT\",\"STO SENT\",\"ALL\")"});
    if (command.form != Form::Set && command.form != Form::Action)
        return Response::error();
    const QByteArray wanted = command.form == Form::Action ? QByteArray(kStatusNames[0]) : Unquoted(command.args).toUpper();
    const auto found = std::find(std::begin(kStatusNames), std::end(kStatusNames), wanted);
    if (found == std::end(kStatusNames))
        return Response::cmsError(CMS_INVALID_TEXT_PARAMETER);
    const int stat = int(found - std::begin(kStatusNames));
    QList<QByteArray> lines;
    for (auto& [index, message] : MessageStorage(state, state.readStorage).entries) {
        if (stat != kAllMessages && message.stat != stat)
            continue;
        const QList<QByteArray> entry = TextModeEntry(message, state);
        lines << "+CMGL: " + QByteArray::number(index) + ',' + entry[0] << entry[1];
        MarkRead(message, state);
    }
    return Response::ok(lines);
}

Response read(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Set)
        return Response::error();
    MessageStore& store = MessageStorage(state, state.readStorage);
    const std::optional<int> index = Number(command.args);
    const auto found = index ? store.entries.find(*index) : store.entries.end();
    if (found == store.entries.end())
        return Response::cmsError(CMS_INVALID_INDEX);
    StoredMessage& message = found->second;
    QList<QByteArray> lines;
    if (TextMode(state)) {
        const QList<QByteArray> entry = TextModeEntry(message, state);
        lines << "+CMGR: " + entry[0] << entry[1];
    } else {
        const QByteArray alpha = message.alpha.isEmpty() ? QByteArray() : '"' + message.alpha.toLatin1() + '"';
        lines << "+CMGR: " + QByteArray::number(message.stat) + ',' + alpha + ',' + QByteArray::number(TpduLength(message.pdu))
              << message.pdu;
    }
    MarkRead(message, state);
    return Response::ok(lines);
}

std::optional<int> FreeIndex(const MessageStore& store)
{
    for (int index = 1; index <= store.total; ++index) {
        if (!store.entries.count(index))
            return index;
    }
    return std::nullopt;
}

bool IsDialString(const QString& number)
{
    return std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit() || c == u'+' || c == u'*' || c == u'#'; });
}

// AT+CMGW["number"[,type[,status]]]: the prompt for the text.
Response write(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Set && command.form != Form::Action)
        return Response::error();
    if (!TextMode(state))
        return Response::cmsError(CMS_OPERATION_NOT_SUPPORTED);
    const QString number = QString::fromLatin1(Unquoted(SplitArguments(command.args).value(0)));
    if (!IsDialString(number))
        return Response::cmsError(CMS_INVALID_TEXT_PARAMETER);
    if (!FreeIndex(MessageStorage(state, state.writeStorage)))
        return Response::cmsError(CMS_MEMORY_FULL);
    state.dialect2.pendingNumber = number;
    return Response::prompt();
}

// The text typed after AT+CMGW, ended by Ctrl-Z.
Response store(const QByteArray& typed, PhoneState& state)
{
    const bool sync = state.charset == "SYNC";
    const std::optional<QString> text = DecodeTextField(sync ? QByteArray(typed).replace('\r', "").replace('\n', "") : typed,
        state.charset);
    if (!text || text->size() > kMaxGsmCharacters)
        return Response::cmsError(CMS_INVALID_TEXT_PARAMETER);
    const QByteArray pdu = MakeSubmitPdu(state.dialect2.pendingNumber, *text);
    const std::optional<PduContent> content = ReadPdu(pdu);
    if (!content || content->text != *text) // more than one message holds
        return Response::cmsError(CMS_INVALID_TEXT_PARAMETER);
    MessageStore& storage = MessageStorage(state, state.writeStorage);
    const std::optional<int> index = FreeIndex(storage);
    if (!index)
        return Response::cmsError(CMS_MEMORY_FULL);
    StoredMessage& message = storage.entries[*index];
    message.stat = 2;
    message.number = state.dialect2.pendingNumber;
    message.text = *text;
    message.pdu = pdu;
    state.contentsChanged = true;
    return Response::ok({"+CMGW: " + QByteArray::number(*index)});
}

// AT+CMSS=index[,"number"[,type]].
Response send(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Set)
        return Response::error();
    const QList<QByteArray> args = SplitArguments(command.args);
    MessageStore& storage = MessageStorage(state, state.writeStorage);
    const std::optional<int> index = Number(args[0]);
    const auto found = index ? storage.entries.find(*index) : storage.entries.end();
    if (found == storage.entries.end())
        return Response::cmsError(CMS_INVALID_INDEX);
    StoredMessage& message = found->second;
    if (message.stat < 2)
        return Response::cmsError(CMS_OPERATION_NOT_ALLOWED);
    const QString number = args.size() > 1 ? QString::fromLatin1(Unquoted(args[1])) : message.number;
    if (number.isEmpty() || !IsDialString(number))
        return Response::cmsError(CMS_INVALID_TEXT_PARAMETER);
    if (message.stat != 3) {
        message.stat = 3;
        state.contentsChanged = true;
    }
    state.dialect2.messageReference = (state.dialect2.messageReference + 1) % 256;
    return Response::ok({"+CMSS: " + QByteArray::number(state.dialect2.messageReference)});
}

} // namespace

void AddDialect2MessageCommands(Dialect& dialect)
{
    AddStandardMessageCommands(dialect);
    dialect.add("+CMGL", list);
    dialect.add("+CMGR", read);
    dialect.add("+CMGW", write);
    dialect.add("+CMSS", send);
    dialect.setPromptHandler(store);
}

} // namespace phonesim
