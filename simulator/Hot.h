#ifndef RVSIM_HOT_H
#define RVSIM_HOT_H

// Marks the functions a status query of an idle controller runs through. The compiler puts them
// side by side, so that a window polling an idle controller every 10 ms finds them in a few pages
// of code: after 10 ms of other work those pages have gone cold, and each one the query touches
// costs a page walk.
#if defined(__GNUC__)
#define RVSIM_HOT __attribute__((hot))
#else
#define RVSIM_HOT
#endif

#endif
