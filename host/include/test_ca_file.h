// A seam for test programs only. A program that defines this function makes
// HTTPS requests trust only the certificates in the file it names (a null or
// empty name changes nothing); the product defines it nowhere, so nothing
// outside a test program can change what is trusted.
#pragma once

extern "C" const char* SlitformTestCaFile();
