#pragma once

class HidBackend;

// The backend an interface uses when it is given none: the real hidraw
// devices unless a program or test sets another. The caller keeps ownership
// and keeps it alive while interfaces use it; nullptr restores the default.
void SetDefaultHidBackend(HidBackend* backend);
HidBackend& DefaultHidBackend();
