// Linked with one library whole, to show that it needs nothing beyond the layers it names.
int main()
{
    return 0;
}
