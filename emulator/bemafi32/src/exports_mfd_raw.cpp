// Detail memory downloads and the raw command channel.
#include "exports.h"

using namespace emu;

namespace {

int download(const char* name, const char* file, const char* kind, const char* start, const char* end,
             const char* user) {
  return call(name, {in(file), in(kind), in(start), in(end), in(user)},
              [=](Printer& p) { return p.download_mfd(file, kind, start, end, user); });
}
int format(const char* name, const char* source, const char* target, const char* form, const char* kind,
           const char* start, const char* end, const char* user) {
  return call(name, {in(source), in(target), in(form), in(kind), in(start), in(end), in(user)},
              [=](Printer& p) { return p.format_mfd(source, target, form, kind, start, end, user); });
}
int cat52(const char* name, const char* file, const char* date) {
  return call(name, {in(file), in(date)}, [=](Printer& p) { return p.cat52(file, date); });
}

int send_frame(const char* name, const char* frame) {
  return call(name, {in(frame)}, [=](Printer& p) { return p.send_frame(frame); });
}
int raw_status(const char* name, int* ret, int* ack, int* st1, int* st2) {
  return call(
      name, {out(ret), out(ack), out(st1), out(st2)}, [=](Printer& p) { return p.raw_status(ret, ack, st1, st2); },
      CallKind::StatusRead);
}
int read_variables(const char* name, char* buffer) {
  return call(name, {out(buffer)}, [=](Printer& p) { return p.read_variables(buffer); }, CallKind::StatusRead);
}
int ascii_status(const char* name, char* buffer) {
  // "ACK,ST1,ST2" of the last command, three digits each (11 characters).
  return call(
      name, {out(buffer)},
      [=](Printer& p) {
        const Status& s = p.last_status();
        return p.write_value(buffer, digits(s.ack, 3) + "," + digits(s.st1, 3) + "," + digits(s.st2, 3), 11);
      },
      CallKind::StatusRead);
}

}  // namespace

#define DOWNLOAD_PARAMS (const char* file, const char* kind, const char* start, const char* end, const char* user)
ENTRY(Bematech_FI_DownloadMFD, download, DOWNLOAD_PARAMS, file, kind, start, end, user)
ENTRY(Bematech_FI_FormatoDadosMFD, format,
      (const char* source, const char* target, const char* form, const char* kind, const char* start,
       const char* end, const char* user),
      source, target, form, kind, start, end, user)
ENTRY(Bematech_FI_GeraRegistrosCAT52MFDEx, cat52, (const char* file, const char* date), file, date)
ENTRY(BemaFormataTX, send_frame, (const char* frame), frame)
ENTRY(BemaStatus_Mp20FI, raw_status, (int* ret, int* ack, int* st1, int* st2), ret, ack, st1, st2)
ENTRY(BemaLe_Variaveis, read_variables, (char* buffer), buffer)
ENTRY(BemaRetorna_ASCII, ascii_status, (char* buffer), buffer)
