// Start with Windows: the value "Brindlecot" under the current user's Run key.
#pragma once

bool IsAutoStart();
void SetAutoStart(bool on);
