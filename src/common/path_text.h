// Bounded text operations on the fixed path buffers.
#pragma once

// Copies text into buffer (size bytes, terminator included). Returns 1, or 0
// with buffer left untouched when the text does not fit.
int CopyPathText(char *buffer, int size, const char *text);

// Appends text to the string in buffer. Returns 1, or 0 with buffer left
// untouched when the result would not fit.
int AppendPathText(char *buffer, int size, const char *text);

// Length of a terminated string.
int PathTextLength(const char *text);
