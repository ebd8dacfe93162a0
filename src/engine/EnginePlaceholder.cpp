// Removed once the loader lands.
