// Removed once the recorder operations exist.
