#pragma once
// The request and answer record shared by the program and its libraries.
