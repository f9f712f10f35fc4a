// Anchors the game library while its subsystem folders fill up.
