#pragma once

// Exclusive use of an open serial line, the way common serial terminals
// take it: the terminal's exclusive mode (TIOCEXCL: a further open fails,
// unless by root) and an advisory lock on the device (flock: every program
// that asks for it, root's too). Another program then cannot interleave its
// frames with ours.

// Takes both on the open descriptor `fd`. False when another open of the
// device already holds the lock; a line without exclusive mode (not a
// terminal) still counts as locked by the lock alone.
bool LockLine(int fd);
// Gives exclusive mode back before the descriptor closes: it belongs to the
// terminal, not the descriptor, and would otherwise outlive us. The lock
// ends with the descriptor.
void UnlockLine(int fd);
