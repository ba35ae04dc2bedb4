// Entry point of kvrsetup. The wizard joins as the framework and the
// controls grow; until then the program only starts and ends cleanly.
int main() { return 0; }
