// The string-table fixture has no code of its own; a DLL needs one object file.
int string_table_fixture_marker = 0;
