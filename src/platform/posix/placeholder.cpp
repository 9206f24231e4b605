// Replaced by KERNEL32 and LZ32 on POSIX.
