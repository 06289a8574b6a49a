-- The single row into which report preparation copies the figures of a case.
INSERT INTO [Report Variables] ([Age], [Summary], [IdealWt], [AvWt], [LossRate], [TimeToTarget], [BreedRecWtLb],
                                [BreedRecWt], [Target], [Progress], [AnName], [Surname], [Spp], [Breed], [Sex],
                                [TelNo], [DateLastWt], [WtRange], [DietRec], [VetCom])
VALUES ('', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '');
