// The checks the interval settings must pass before the schedule starts.
#pragma once

class COrvelDoc;

// On the values already taken into the document: a user file name gains ".wsx" when it has no
// extension, an existing user file must come from the same sensor type, and the data folder
// (or the user file's folder) must exist and be writable. Shows the message of the first check
// that fails and returns false.
bool IntervalStartChecksPass(COrvelDoc& doc);
