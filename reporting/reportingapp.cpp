// The reporting tool's windows.
