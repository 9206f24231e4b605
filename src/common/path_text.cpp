#include "path_text.h"

int PathTextLength(const char *text)
{
    int length = 0;
    while (text[length] != '\0')
        length++;
    return length;
}

int CopyPathText(char *buffer, int size, const char *text)
{
    int length = PathTextLength(text);
    if (length >= size)
        return 0;
    for (int i = 0; i <= length; i++)
        buffer[i] = text[i];
    return 1;
}

int AppendPathText(char *buffer, int size, const char *text)
{
    int used = PathTextLength(buffer);
    if (used >= size)
        return 0;
    return CopyPathText(buffer + used, size - used, text);
}
