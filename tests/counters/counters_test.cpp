// The printer counters and identification values.
