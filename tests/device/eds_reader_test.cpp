// The EDS reader on small EDS files written by the tests: names, captions and
// parents, template expansion, skipped and malformed sections, sort order.
#include "device/eds_reader.h"
#include "fake_main_window.h"
#include "working_folder.h"

#include <QStringList>

namespace {

class EdsReader : public WorkingFolderTest {
protected:
    // Reads `text` as an EDS, answering template count queries from `counts`.
    void read(const QByteArray &text, QMap<QString, quint16> counts = {}, QString family = "")
    {
        writeFile("test.eds", text);
        asked.clear();
        problems.clear();
        ASSERT_TRUE(readEdsFile("test.eds", family, map, [&](const QString &index) {
            asked.append(index);
            return counts.value(index, 0);
        }, &problems));
    }
    const CanParam &at(const QString &name)
    {
        EXPECT_TRUE(map.contains(name)) << name.toStdString();
        return *map.find(name);
    }

    CanParamMap map;
    QStringList asked;
    QStringList problems;
};

const QByteArray kIdentity = R"([FileInfo]
FileName=test.eds
[1000]
ParameterName=Device type
DataType=0x0007
AccessType=ro
DefaultValue=0x00000191
Comment=Profile
[1018]
ParameterName=Identity
DataType=0x0009
[1018sub0]
ParameterName=Number of entries
DataType=0x0005
AccessType=const
[1018sub1]
ParameterName=Vendor-ID
DataType=0x0007
AccessType=RO
[1018sub2]
ParameterName=Product code
DataType=0x0007
AccessType=ro
DefaultValue=$NODEID+0x180
[1018subA]
ParameterName=Tenth
DataType=0x0007
)";

} // namespace

TEST_F(EdsReader, TopLevelRecord)
{
    read(kIdentity);
    const CanParam &p = at(" 0x1000 Device type");
    EXPECT_EQ(p.caption, "0x1000 Device type");
    EXPECT_EQ(p.index, "1000");
    EXPECT_EQ(p.subindex, "0");
    EXPECT_TRUE(p.parent.isEmpty());
    EXPECT_EQ(p.dataType, 7);
    EXPECT_EQ(p.size, 4);
    EXPECT_EQ(p.valueKind, 1);
    EXPECT_TRUE(p.readOnly);
    EXPECT_EQ(p.defaultValue, "0x00000191");
    EXPECT_EQ(p.description, "Profile");
    EXPECT_EQ(p.ownerMap, &map);
}

TEST_F(EdsReader, SubEntriesParentsAndOrder)
{
    read(kIdentity);
    const QString parentName = " 0x1018 Identity";
    const CanParam &sub2 = at("002 0x1018sub2 Product code");
    EXPECT_EQ(sub2.parent, parentName);
    EXPECT_EQ(sub2.subindex, "2");
    EXPECT_EQ(sub2.caption, "0x1018sub2 Product code");
    EXPECT_EQ(sub2.defaultValue, "$NODEID+0x180");
    EXPECT_TRUE(sub2.readOnly);
    EXPECT_FALSE(at("001 0x1018sub1 Vendor-ID").readOnly);  // "RO" is not "ro"
    EXPECT_FALSE(at("000 0x1018sub0 Number of entries").readOnly); // nor is "const"

    const CanParam &parent = at(parentName);
    EXPECT_EQ(parent.dataType, 0); // sub 1 makes the parent a pure group
    const QVector<QString> expected = {"000 0x1018sub0 Number of entries",
                                       "001 0x1018sub1 Vendor-ID",
                                       "002 0x1018sub2 Product code", "010 0x1018subA Tenth"};
    EXPECT_EQ(parent.subEntryNames, expected);
    EXPECT_FALSE(map.contains("FileInfo"));
    EXPECT_EQ(map.size(), 6);
}

TEST_F(EdsReader, TemplateIndexExpandsToDeviceCount)
{
    read(R"([A000]
ParameterName=Mapping
[A000sub0]
ParameterName=Count
DataType=0x0005
[A000sub1]
ParameterName=Mapping 1
DataType=0x0007
[A001]
ParameterName=After
DataType=0x0005
)",
         {{"A000", 3}});
    EXPECT_EQ(asked, QStringList{"A000"});
    EXPECT_FALSE(map.contains("000 0x A000sub0 Count"));
    for (int j = 1; j <= 3; ++j) {
        const QString name = QString("00%1 A000sub%1 Mapping 1").arg(j);
        const CanParam &p = at(name);
        EXPECT_EQ(p.subindex, QString::number(j));
        EXPECT_EQ(p.caption, QString("A000sub%1 Mapping %1").arg(j));
        EXPECT_EQ(p.parent, " 0xA000 Mapping");
    }
    EXPECT_EQ(at(" 0xA000 Mapping").subEntryNames.size(), 3);
    EXPECT_EQ(at(" 0xA000 Mapping").dataType, 0);
    EXPECT_TRUE(map.contains(" 0xA001 After")); // the count was used up
    EXPECT_EQ(map.size(), 5);
}

TEST_F(EdsReader, TemplateSubindexesPastNineAreHexadecimal)
{
    read("[B000]\nParameterName=T\n[B000sub0]\nParameterName=N\n[B000sub1]\nParameterName=Item1\n",
         {{"B000", 11}});
    EXPECT_TRUE(map.contains("010 B000subA Item1"));
    EXPECT_EQ(at("011 B000subB Item1").subindex, "B");
    EXPECT_EQ(at("011 B000subB Item1").caption, "B000subB Item11");
}

TEST_F(EdsReader, PendingCountGoesToNextRecordSection)
{
    // The template's own sub1 is missing: the next index section is repeated.
    read(R"([A000sub0]
ParameterName=Count
[a000sub1]
ParameterName=lower case is skipped
[A001sub1]
ParameterName=
[A002]
ParameterName=Next2
DataType=5
)",
         {{"A000", 2}});
    EXPECT_EQ(at(" A002sub1 Next2").caption, "A002sub1 Next1");
    EXPECT_EQ(at(" A002sub2 Next2").caption, "A002sub2 Next2");
    EXPECT_EQ(map.size(), 2);
}

TEST_F(EdsReader, ZeroOrFailedCountLeavesOneOrdinaryRecord)
{
    read("[A000sub0]\nParameterName=Count\n[A000sub5]\nParameterName=Entry\nDataType=7\n",
         {{"A000", 0}});
    ASSERT_EQ(map.size(), 1);
    EXPECT_EQ(map.first().subindex, "5");
    EXPECT_EQ(map.first().name, "005 0xA000sub5 Entry");
}

TEST_F(EdsReader, StoredEdsObjectYieldsNoRecord)
{
    read("[1021]\nParameterName=Store EDS\nDataType=0xF\n[1021sub0]\nParameterName=X\n");
    EXPECT_TRUE(map.isEmpty());
}

TEST_F(EdsReader, MalformedSectionsAndValues)
{
    read(R"([Comments]
Lines=1
[1000]
Comment=no parameter name
[10]
ParameterName=too short index
[1A2G]
ParameterName=not hexadecimal
[12345]
ParameterName=too long without sub
[2000]
ParameterName=Bad type
DataType=zz
[2000sub]
ParameterName=Empty subindex
[2001]
ParameterName=Listed, with, commas
Comment=one, two
)");
    EXPECT_EQ(at(" 0x2000 Bad type").dataType, 0);
    EXPECT_EQ(at(" 0x2000 Bad type").size, -1);
    EXPECT_EQ(at(" 0x2001 Listed, with, commas").description, "one, two");
    EXPECT_EQ(map.size(), 2); // an empty subindex names no object
    EXPECT_EQ(problems, QStringList{QString::fromUtf8(
                            "Раздел [2000sub] файла словаря объектов пропущен: неверный адрес объекта "
                            "(индекс \"2000\", субиндекс \"\")")});
}

// A subindex past 0xFF, or an index that is no hexadecimal number, would be cut
// to another object on the bus: such records are refused, one message per section.
TEST_F(EdsReader, SectionsThatNameNoSingleObjectAreRefused)
{
    read("[2100]\nParameterName=Table\n[2100sub100]\nParameterName=Past FF\n[2100subFF]\n"
         "ParameterName=Last\n[21|0]\nParameterName=Bar\n[A000sub0]\nParameterName=N\n"
         "[A000sub1]\nParameterName=Entry1\n",
         {{"A000", 300}});
    EXPECT_TRUE(map.contains("255 0x2100subFF Last"));
    EXPECT_TRUE(map.contains("255 A000subFF Entry1"));
    EXPECT_EQ(map.size(), 2 + 255);
    const QString prefix = QString::fromUtf8("Раздел [%1] файла словаря объектов пропущен: неверный адрес объекта ");
    EXPECT_EQ(problems, (QStringList{prefix.arg("2100sub100") + QString::fromUtf8("(индекс \"2100\", субиндекс \"100\")"),
                                     prefix.arg("21|0") + QString::fromUtf8("(индекс \"21|0\", субиндекс \"0\")"),
                                     prefix.arg("A000sub1") + QString::fromUtf8("(индекс \"A000\", субиндекс \"100\")")}));
}

TEST_F(EdsReader, DefaultValueWithCommasIsJoinedLikeTheNames)
{
    read("[2000]\nParameterName=a,b\nDefaultValue=1,2,3\n");
    EXPECT_EQ(at(" 0x2000 a, b").defaultValue, "1, 2, 3");
}

TEST_F(EdsReader, FileThatIsNotUtf8IsReadAsLatin1)
{
    read("[2000]\nParameterName=Temp \xb0" "C\nComment=\xc4nderung\n");
    EXPECT_EQ(at(QString::fromLatin1(" 0x2000 Temp \xb0" "C")).description, QString::fromLatin1("\xc4nderung"));
}

TEST_F(EdsReader, FileWithoutRecordsIsLogged)
{
    FakeMainWindow window;
    writeFile("empty.eds", "[FileInfo]\nFileName=empty.eds\n[1021]\nParameterName=Store EDS\n");
    window.m_edsPath = "empty.eds";
    readEds(window);
    EXPECT_TRUE(window.m_mainParams.isEmpty());
    EXPECT_EQ(window.lines(), QStringList{QString::fromUtf8(
                                  "error: Ошибка! Файл словаря объектов не содержит ни одного объекта. ")});
}

TEST_F(EdsReader, SubSectionWithoutItsIndexGetsNoForeignParent)
{
    read("[1000]\nParameterName=A\nDataType=7\n[1001sub1]\nParameterName=B\n");
    EXPECT_TRUE(at("001 0x1001sub1 B").parent.isEmpty());
    EXPECT_TRUE(at(" 0x1000 A").subEntryNames.isEmpty());
    EXPECT_EQ(at(" 0x1000 A").dataType, 7);
}

TEST_F(EdsReader, FamilyIndexHasNoDescription)
{
    read("[2F00]\nParameterName=F\nComment=c\n[2F01]\nParameterName=G\nComment=d\n", {}, "2F00");
    EXPECT_TRUE(at(" 0x2F00 F").description.isEmpty());
    EXPECT_EQ(at(" 0x2F01 G").description, "d");
}

TEST_F(EdsReader, RereadReplacesRecordsWithoutDuplicates)
{
    read(kIdentity);
    read(kIdentity);
    EXPECT_EQ(map.size(), 6);
    EXPECT_EQ(at(" 0x1018 Identity").subEntryNames.size(), 4);
}

TEST_F(EdsReader, MissingFileChangesNothing)
{
    map.insert("x", CanParam());
    EXPECT_FALSE(readEdsFile("absent.eds", "", map, nullptr));
    EXPECT_EQ(map.size(), 1);
}

TEST_F(EdsReader, Utf8Texts)
{
    read("[2000]\nParameterName=Скорость\nComment=об/мин\n");
    EXPECT_EQ(at(QString::fromUtf8(" 0x2000 Скорость")).description, QString::fromUtf8("об/мин"));
}
