#pragma once

class ShellView;

// Asks (message 14) whether every link shall go. True on Yes.
bool AskDeleteAllLinks();

// Asks (message 14) whether every link shall go; on Yes empties the link table
// and marks the data as consistent. Always refreshes the status bar and shows
// the module overview. True when the user confirmed.
bool DeleteAllLinks(ShellView& view);
