// Entry point of kvr. The application object and its start-up join as the
// framework and the front end grow; until then the program only starts and
// ends cleanly.
int main() { return 0; }
