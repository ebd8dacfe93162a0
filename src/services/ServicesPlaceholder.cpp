// Removed once the first service lands.
