// Table sine of whole degrees, for drawing without the library sine.
#pragma once

extern double* sinlookup;  // sine of each whole degree, built at start-up, never freed
extern int sinvalues;      // entries in sinlookup

// Fills the global table (360 entries); called once at start-up.
void build_sine_table();

double Sin(double angle);
double Cos(double angle);
