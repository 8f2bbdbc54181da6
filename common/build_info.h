#pragma once
// When the program was built; fixed at build time and taken from
// SOURCE_DATE_EPOCH when it is set, so that builds reproduce.

// "Mmm dd yyyy", 11 characters, the day padded with a blank.
const char* build_date();

// "Www Mmm dd hh:mm:ss yyyy", 24 characters.
const char* build_timestamp();
