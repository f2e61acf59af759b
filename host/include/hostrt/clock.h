#pragma once
// The one clock of the process. Every "current date and time" in the driver is
// read here, so a test or a host can fix it.
#include "hostrt/datetime.h"

namespace hostrt {

DateTime Now();                 // fixed time + offset, or system local time + offset
DateTime Date();                // Now() without the time
void SetFixedNow(DateTime dt);  // from now on Now() returns dt (plus any offset)
void SetClockOffset(double days);  // added to every reading
void UseSystemClock();          // back to the system clock, offset cleared

}  // namespace hostrt
