// Linked with one of the add-on's libraries taken whole and only the
// libraries below it: every symbol the library uses must come from there.
int main() {
  return 0;
}
