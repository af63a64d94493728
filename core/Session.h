#pragma once

// Puts every process-wide table and value of a session back to how the
// program starts: no modules, no links (every slot zeroed, DataState 99), no
// device values, no signal groups, the port settings before the first search;
// nothing unsaved.
// Tests start from it; a front end may call it before it begins anew.
void ResetSession();
