#pragma once

// Before the links go to the device: the ones the editor would not have
// made are listed, and the user decides; No is the default.

// True when the write may go on: no active link has a problem, or the user
// said Yes to the list.
bool AskWriteDespiteLinkProblems();
