// Linked with every object of one layer and the layers below it, and nothing above.
int main()
{
    return 0;
}
