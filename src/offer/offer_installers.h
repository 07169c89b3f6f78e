#pragma once

// Offers, once per run, every supported kind whose fragment occurs in
// `hardwareId` (NUL-terminated, not modified), in table order, and runs the
// installer of each kind the user says Yes to before testing the next row.
void OfferInstallers(const char* hardwareId);
