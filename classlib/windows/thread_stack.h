// Giving back the part of a thread's stack it has not reached. Under Wine a
// new thread's whole stack is committed and written over at its start,
// whatever reserve the thread asked for, so each thread costs about 1 MB
// while it lives; Windows commits a stack only as it grows.
#pragma once

// Called first thing on a thread: decommits what lies more than a few pages
// below the caller and puts a guard page above it, the layout a Windows
// stack starts with, so that the stack still grows to its full reserve.
// Where those pages are not committed (as under Windows), nothing changes.
void GiveBackUnusedStack() noexcept;
